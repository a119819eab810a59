VERSION 5.00
Begin VB.Form Main
   Caption         =   "Main"
   Picture         =   "Main.frx":0000
End
Attribute VB_Name = "Main"
Option Explicit
