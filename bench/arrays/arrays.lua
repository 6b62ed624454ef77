-- The Lua 5.4 equivalent of arrays.asm: fill 10 million integers, sum them five times, then
-- append one million integers to a second table. Prints the sum wrapped to 32 bits (as the
-- bytecode's int arithmetic wraps) and the length of the second table.
local N = 10000000
local a = {}
for i = 0, N - 1 do
    a[i + 1] = i
end
local sum = 0
for _ = 1, 5 do
    for i = 1, N do
        sum = sum + a[i]
    end
end
local b = {}
for i = 0, 999999 do
    b[#b + 1] = i
end
sum = ((sum + 2147483648) % 4294967296) - 2147483648
print(sum)
print(#b)
