VERSION 5.00
Begin VB.MDIForm MDIForm1
   Begin VB.CommandButton cmd
   End
End
Attribute VB_Name = "MDIForm1"
