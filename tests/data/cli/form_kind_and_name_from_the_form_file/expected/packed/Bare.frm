Begin VB.Form
Attribute VB_Name = "Bare"
