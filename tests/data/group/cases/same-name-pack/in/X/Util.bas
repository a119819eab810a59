Attribute VB_Name = "A"
