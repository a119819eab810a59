Attribute VB_Name = "Kana"
