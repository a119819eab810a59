VERSION 5.00
Begin VB.Form Form1
   Begin VB.CommandButton cmd
   End
End
Attribute VB_Name = "Form1"
