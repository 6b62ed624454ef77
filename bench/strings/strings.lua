-- The Lua 5.4 twin of strings.asm: 2,000,000 letters one at a time, count one letter, then the
-- decimal text of 0..199,999 concatenated. Written the way Lua builds strings (a table of
-- pieces joined once), since repeated `..` would copy the whole text on every step.
local letters = {}
for i = 0, 1999999 do
    letters[i + 1] = string.char(97 + i % 26)
end
local text = table.concat(letters)
print(#text)
local _, count = text:gsub("e", "")
print(count)

local numbers = {}
for i = 0, 199999 do
    numbers[i + 1] = tostring(i)
end
print(#table.concat(numbers))
