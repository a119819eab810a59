VERSION 5.00
Begin VB.UserControl Grid
End
Attribute VB_Name = "Grid"
