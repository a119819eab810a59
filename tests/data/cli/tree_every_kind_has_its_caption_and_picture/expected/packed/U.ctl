Attribute VB_Name = "U"
