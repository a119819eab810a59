VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Object = "{3B7C8863-D78F-101B-B9B5-04021C009402}#1.2#0"; "RICHTX32.OCX"
Object = "*\A..\Ctl\Ctl.vbp"
Begin VB.Form Main
   Caption         =   "Main"
End
Object = "{00000000-0000-0000-0000-000000000000}#1.0#0"; "AFTER.OCX"
Attribute VB_Name = "Main"
