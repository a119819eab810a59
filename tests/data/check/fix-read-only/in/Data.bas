Attribute VB_Name = "Data"
Option Explicit

Public Sub Go()
End Sub
