VERSION 5.00
Begin VB.Form F
   Begin VB.CommandButton cmd
   End
End
Attribute VB_Name = "F"
