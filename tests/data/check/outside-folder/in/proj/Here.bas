Attribute VB_Name = "Here"
Option Explicit

Public Sub Go()
End Sub
