m
