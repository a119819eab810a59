Attribute VB_Name = "ÉA"
