VERSION 5.00
Begin VB.Form Main
   Begin VB.CommandButton cmd
   End
End
Attribute VB_Name = "Main"
