[playlist]
File1=/a
File2=/b
NumberOfEntries=4294967295
Version=2
