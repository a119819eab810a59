VERSION 5.00
Begin VB.Form Main
   Picture = "ÉA.frx":0000
   Icon = "Éa.frx":0000
End
Attribute VB_Name = "Main"
