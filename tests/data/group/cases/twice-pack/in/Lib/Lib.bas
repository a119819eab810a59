Attribute VB_Name = "Lib"
