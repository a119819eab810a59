VERSION 5.00
Begin VB.MDIForm mdiShell 
   BackColor       =   &H8000000C&
   Caption         =   "Workspace"
   ClientHeight    =   3195
   ClientWidth     =   4680
End
Attribute VB_Name = "mdiShell"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit
