Attribute VB_Name = "X"
