Attribute VB_Name = "modGlobals"
Option Explicit

Public Const APP_TITLE As String = "Tarvex Demo"
