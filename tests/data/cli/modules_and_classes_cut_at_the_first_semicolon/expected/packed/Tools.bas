Attribute VB_Name = "Tools"
