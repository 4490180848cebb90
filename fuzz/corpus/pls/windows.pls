[Playlist]
 file1 = "C:\a b.mp3" 
NUMBEROFENTRIES=3
version=2
File2='/x'
