Attribute VB_Name = "Other"
