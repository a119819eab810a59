Attribute VB_Name = "Util"
Option Explicit

Public Sub Go()
    MsgBox "ab"
End Sub