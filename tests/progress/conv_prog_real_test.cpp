// placeholder, filled once the real stages are in
