// Several copies as processes: filled in below.
