Attribute VB_Name = "Util"
Option Explicit



Public Sub Go()
é

End Sub
