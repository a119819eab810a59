VERSION 5.00
Begin VB.Form frmAbout 
   BorderStyle     =   3  'Fixed Dialog
   Caption         =   "About Tarvex Demo"
   ClientHeight    =   1500
   ClientWidth     =   3600
   Begin VB.Label lblAbout 
      Caption         =   "Café edition € 2026"
      Height          =   495
      Left            =   120
      Top             =   120
      Width           =   3375
   End
End
Attribute VB_Name = "frmAbout"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit
