"""The book's drawings by name (registry, sheets, heights); the other bookmaker modules draw through it."""

from PIL import Image  # noqa: F401  (ui.py resizes with art.Image)

from .artbase import (  # noqa: F401
    SS, SKIN, SKIN_TAN, SKIN_DARK, INK, WHITE, PINK, FONT_BOLD, Pen, darker, lighter
)
from .people import (  # noqa: F401
    person, draw_tom, draw_amy, draw_ben, draw_mum, draw_dad, draw_grandma, draw_missbell, draw_mrlee
)
from .animals import (  # noqa: F401
    draw_cat, draw_dog, draw_bird, draw_fish, draw_rabbit, draw_duck, draw_cow, draw_pig, draw_sheep,
    draw_lion, draw_elephant, draw_monkey, draw_giraffe, draw_bear, draw_teddy, draw_frog
)
from .things import (  # noqa: F401
    draw_apple, draw_banana, draw_orange, draw_grapes, draw_bread, draw_egg, draw_milk, draw_juice,
    draw_water, draw_rice, draw_cheese, draw_cookie, draw_carrot, draw_sandwich, draw_cake, draw_pen,
    draw_pencil, draw_book, draw_bag, draw_ruler, draw_ball, draw_balloon, draw_kite, draw_doll, draw_car,
    draw_box, draw_chair, draw_desk, draw_bed, draw_clock, draw_sun, draw_cloud, draw_rain, draw_snow,
    draw_star, draw_moon, draw_rainbow, draw_tree, draw_flower, draw_house, draw_umbrella, draw_hat,
    draw_coat, draw_shoes, draw_number
)

COLOURS = {
    "red": (235, 64, 52), "blue": (66, 133, 244), "yellow": (251, 200, 20),
    "green": (67, 176, 71), "orange": (255, 140, 30), "purple": (156, 80, 182),
    "pink": (255, 128, 171), "brown": (141, 96, 62), "white": (245, 245, 245),
    "black": (60, 60, 60), "grey": (150, 150, 160),
}


DRAWINGS = {
    "tom": draw_tom, "amy": draw_amy, "ben": draw_ben, "mum": draw_mum, "dad": draw_dad,
    "grandma": draw_grandma, "missbell": draw_missbell, "mrlee": draw_mrlee,
    "cat": draw_cat, "dog": draw_dog, "bird": draw_bird, "fish": draw_fish, "rabbit": draw_rabbit,
    "duck": draw_duck, "cow": draw_cow, "pig": draw_pig, "sheep": draw_sheep, "lion": draw_lion,
    "elephant": draw_elephant, "monkey": draw_monkey, "giraffe": draw_giraffe, "bear": draw_bear,
    "frog": draw_frog, "teddy": draw_teddy,
    "apple": draw_apple, "banana": draw_banana, "orange": draw_orange, "grapes": draw_grapes,
    "bread": draw_bread, "egg": draw_egg, "milk": draw_milk, "juice": draw_juice, "water": draw_water,
    "rice": draw_rice, "cheese": draw_cheese, "cookie": draw_cookie, "carrot": draw_carrot,
    "sandwich": draw_sandwich, "cake": draw_cake,
    "pen": draw_pen, "pencil": draw_pencil, "book": draw_book, "bag": draw_bag, "ruler": draw_ruler,
    "ball": draw_ball, "balloon": draw_balloon, "kite": draw_kite, "doll": draw_doll, "car": draw_car,
    "box": draw_box, "chair": draw_chair, "desk": draw_desk, "bed": draw_bed, "clock": draw_clock,
    "sun": draw_sun, "cloud": draw_cloud, "rain": draw_rain, "snow": draw_snow, "star": draw_star,
    "moon": draw_moon, "rainbow": draw_rainbow, "tree": draw_tree, "flower": draw_flower,
    "house": draw_house, "umbrella": draw_umbrella, "hat": draw_hat, "coat": draw_coat,
    "shoes": draw_shoes,
}

# Things whose main colour a course may choose ("red ball", "blue balloon").
COLOURABLE = {"ball", "balloon", "kite", "car", "book", "apple", "flower", "star", "fish", "bird"}

# Which sprite sheet a drawing lives on.
PEOPLE = {"tom", "amy", "ben", "mum", "dad", "grandma", "missbell", "mrlee", "doll"}
ANIMALS = {"cat", "dog", "bird", "fish", "rabbit", "duck", "cow", "pig", "sheep", "lion", "elephant",
           "monkey", "giraffe", "bear", "frog", "teddy"}
FOOD = {"apple", "banana", "orange", "grapes", "bread", "egg", "milk", "juice", "water", "rice", "cheese",
        "cookie", "carrot", "sandwich", "cake"}

# Where a thing belongs in a scene and how tall it is, as a share of the scene height.
SKY = {"sun", "moon", "cloud", "rain", "snow", "star", "bird", "kite", "rainbow", "balloon"}
HEIGHT = {
    "tom": 0.55, "amy": 0.55, "ben": 0.3, "mum": 0.72, "dad": 0.76, "grandma": 0.68, "missbell": 0.72,
    "mrlee": 0.74, "doll": 0.3, "elephant": 0.5, "giraffe": 0.75, "cow": 0.38, "lion": 0.4, "bear": 0.42,
    "monkey": 0.42, "tree": 0.7, "house": 0.55, "bed": 0.32, "desk": 0.3, "chair": 0.34, "rainbow": 0.35,
    "sun": 0.3, "moon": 0.28, "cloud": 0.22, "rain": 0.3, "star": 0.15, "balloon": 0.4, "kite": 0.34,
}
DEFAULT_HEIGHT = 0.24


def sheet_of(base):
    if base in PEOPLE:
        return "people"
    if base in ANIMALS:
        return "animals"
    if base in FOOD:
        return "food"
    return "things"


def render(base, colour=None, number=None):
    """Draws one thing; colour is a name from COLOURS for colourable things."""
    if base == "number":
        return draw_number(number)
    fn = DRAWINGS[base]
    if colour:
        return fn(COLOURS[colour])
    return fn()
