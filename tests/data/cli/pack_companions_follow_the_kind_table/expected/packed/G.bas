Attribute VB_Name = "G"
