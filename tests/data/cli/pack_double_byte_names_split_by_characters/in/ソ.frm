VERSION 5.00
Begin VB.Form frmƒ\
End
Attribute VB_Name = "frmƒ\"
