VERSION 5.00
Begin VB.MDIForm M
   Begin VB.CommandButton cmd
   End
End
Attribute VB_Name = "M"
