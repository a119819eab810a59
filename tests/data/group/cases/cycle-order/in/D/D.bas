Attribute VB_Name = "D"
