Attribute VB_Name = "Shared"
Option Explicit

Public Sub Go()
End Sub
