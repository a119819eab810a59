VERSION 5.00
Begin VB.UserControl Badge
   Caption         =   "Badge"
   Picture         =   "Badge.ctx":0000
End
Attribute VB_Name = "Badge"
Option Explicit
