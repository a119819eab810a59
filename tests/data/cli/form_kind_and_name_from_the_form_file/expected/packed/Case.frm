BEGIN vb.FORM Form9
attribute vb_name=Case9
