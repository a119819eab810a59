Attribute VB_Name = "Text"
