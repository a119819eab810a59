VERSION 5.00
Begin VB.MDIForm Shell
   Begin VB.CommandButton cmd
   End
End
Attribute VB_Name = "Shell"
