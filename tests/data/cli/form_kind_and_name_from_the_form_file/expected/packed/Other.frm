begin  vb.form x
   Begin VB.Form Inner
Attribute  VB_Name = "No"
