		set theFile to POSIX file "/Users/me/Applications/Tidra.app" 
		  tell application "Finder" 
		      move theFile to trash 
		  end tell