[playlist]
File3=/c
File1=/a
file1=/dup
File2=/b
File01=/zero
NumberOfEntries=3
Version=2
