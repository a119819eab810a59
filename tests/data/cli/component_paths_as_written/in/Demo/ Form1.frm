VERSION 5.00
Begin VB.Form Spaced
   Begin VB.CommandButton cmd
   End
End
Attribute VB_Name = "Spaced"
