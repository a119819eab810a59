Attribute VB_Name = "util"
Option Explicit

Public Sub Go()
End Sub
