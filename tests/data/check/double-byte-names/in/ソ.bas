Attribute VB_Name = "Tool"
