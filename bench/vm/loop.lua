local sum = 0
for i = 20000, 1, -1 do
  for j = 10000, 1, -1 do
    sum = sum + (j & 3)
  end
end
io.stderr:write("LOG: ", sum, "\n")
