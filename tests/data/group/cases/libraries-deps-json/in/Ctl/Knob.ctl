VERSION 5.00
Begin VB.UserControl Knob
End
Attribute VB_Name = "Knob"
