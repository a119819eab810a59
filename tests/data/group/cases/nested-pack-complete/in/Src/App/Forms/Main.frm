VERSION 5.00
Begin VB.MDIForm Main
End
Attribute VB_Name = "Main"
