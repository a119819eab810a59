VERSION 5.00
Object = "{2468ACE0-1357-9BDF-0246-8ACE13579BDF}#1.0#0"; "Ctl.ocx"
Begin VB.Form Main
   Caption = "Main"
End
Attribute VB_Name = "Main"
