[playlist]
File1=/music/song.mp3
Title1=song.mp3
Length1=245
File2=clip.avi
NumberOfEntries=2
Version=2
