Attribute VB_Name = "Same"
