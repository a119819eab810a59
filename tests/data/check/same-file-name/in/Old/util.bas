Attribute VB_Name = "Util2"
Option Explicit

Public Sub Go()
End Sub
