// placeholder, replaced by the message box service
