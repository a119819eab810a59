Attribute VB_Name = "C"
