no form
