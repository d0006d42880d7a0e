// placeholder until the tabs library lands
