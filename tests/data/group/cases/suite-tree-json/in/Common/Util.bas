Attribute VB_Name = "Util"
Option Explicit
