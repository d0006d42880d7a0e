// placeholder until the search library lands
