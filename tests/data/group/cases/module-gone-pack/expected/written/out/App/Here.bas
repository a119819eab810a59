Attribute VB_Name = "Here"
