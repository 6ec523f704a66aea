/*
 * Menu helpers for the tea pages.
 */
var TeaMenu = {
    // Prices in yen, by tea.
    prices: { "sencha": 480, "hojicha": 450, "genmaicha": 420 },

    priceOf: function (name) {
        var price = this.prices[name];   // undefined when unknown
        return price === undefined ? "--" : price + " 円";
    },

    /* Builds "name: price" lines. */
    lines: function () {
        var out = [];
        for (var name in this.prices) {
            out.push(name + ": " + this.priceOf(name));   // e.g. "sencha: 480 円"
        }
        return out.join("\n");
    }
};
