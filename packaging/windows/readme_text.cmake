# Usage: cmake -D IN=README.ja.md -D OUT=README.ja.txt -P readme_text.cmake
# Writes a Markdown file as a text file that Notepad on any Windows reads as
# it is: UTF-8 with a byte order mark, lines ended by CR LF.
file(READ "${IN}" text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 byte_order_mark)
file(WRITE "${OUT}" "${byte_order_mark}${text}")
