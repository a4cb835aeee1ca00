[playlist]
File1=http://a/1
Title1=One
File2=http://b/2
File=c.mp3
Title=Third
Title7=No file
NumberOfEntries=3
