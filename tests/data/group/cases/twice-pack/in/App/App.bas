Attribute VB_Name = "App"
