VERSION 5.00
Begin VB.MDIForm B
   Begin VB.CommandButton cmd
   End
End
Attribute VB_Name = "B"
