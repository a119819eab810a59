Attribute VB_Name = "Table"
