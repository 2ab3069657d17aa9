# Import-table checks on RemoteControl.exe (label imports).
