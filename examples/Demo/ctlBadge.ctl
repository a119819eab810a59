VERSION 5.00
Begin VB.UserControl ctlBadge 
   ClientHeight    =   480
   ClientWidth     =   480
   PropertyPages   =   "ctlBadge.ctx":0000
   ScaleHeight     =   480
   ScaleWidth      =   480
   ToolboxBitmap   =   "ctlBadge.ctx":0004
End
Attribute VB_Name = "ctlBadge"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = True
Attribute VB_PredeclaredId = False
Attribute VB_Exposed = False
Option Explicit
