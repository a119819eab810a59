Begin VB.Form F
End
Attribute VB_Name = "F"
