local function class(value)
  local c = {}
  c.__index = c
  function c:area() return value end
  return c
end
local A, B, C = class(1), class(2), class(3)
local objs = { [0] = setmetatable({}, A), setmetatable({}, B), setmetatable({}, C) }
local sum = 0
for i = 50000000, 1, -1 do
  sum = sum + objs[i % 3]:area()
end
io.stderr:write("LOG: ", sum, "\n")
