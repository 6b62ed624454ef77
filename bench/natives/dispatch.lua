local function toChar(i) return i & 0xFFFF end
local function nop() end
local sum = 0
for i = 60000000, 1, -1 do
  sum = (sum + toChar(i)) & 0xFFFFFFFF
  nop()
end
if sum >= 0x80000000 then sum = sum - 0x100000000 end
io.stderr:write("LOG: ", sum, "\n")
