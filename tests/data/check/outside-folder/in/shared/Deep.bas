Attribute VB_Name = "Deep"
Option Explicit

Public Sub Go()
End Sub
