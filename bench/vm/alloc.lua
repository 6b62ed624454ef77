local ring = {}
local index = 0
for i = 1, 20000000 do
  ring[index] = { i }
  index = (index + 1) % 1000
end
io.stderr:write("LOG: allocated 20000000\n")
