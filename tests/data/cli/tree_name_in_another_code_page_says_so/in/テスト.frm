VERSION 5.00
Begin VB.Form T
End
Attribute VB_Name = "T"
