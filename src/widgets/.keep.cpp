// placeholder until the widgets library lands
