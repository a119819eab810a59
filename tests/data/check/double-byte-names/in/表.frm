VERSION 5.00
Begin VB.Form Hyo
   Picture = "•\.frx":0000
End
Attribute VB_Name = "Hyo"
