Attribute VB_Name = "B"
