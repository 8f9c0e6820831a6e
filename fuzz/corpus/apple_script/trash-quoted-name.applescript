		set theFile to POSIX file "/Users/me/Old \"Tidra\".app" 
		  tell application "Finder" 
		      move theFile to trash 
		  end tell