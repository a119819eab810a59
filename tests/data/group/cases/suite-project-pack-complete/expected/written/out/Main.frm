VERSION 5.00
Begin VB.Form Main
   Caption = "Main"
End
Attribute VB_Name = "Main"
