Attribute VB_Name = "One"
  Attribute VB_Name   =   "Two"  
XAttribute VB_Name = "Three"
