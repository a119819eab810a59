VERSION 5.00
Object = "{2468ACE0-1357-9BDF-0246-8ACE13579BDF}#1.0#0"; "Ctl.ocx"
Object = "{12345678-9ABC-DEF0-1234-56789ABCDEF0}#3.7#0"; "Lib.dll"
Begin VB.Form Main
   Caption = "Main"
End
Attribute VB_Name = "Main"
