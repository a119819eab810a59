Attribute VB_Name = "Odd"
