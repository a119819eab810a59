VERSION 5.00
Begin VB.Form A
   Begin VB.CommandButton cmd
   End
End
Attribute VB_Name = "A"
