// Present so that the folder exists; the check reads only include lines.
